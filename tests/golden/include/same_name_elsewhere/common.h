#ifndef MAIN_COMMON_H
#define MAIN_COMMON_H
int from_main_dir;
#endif
