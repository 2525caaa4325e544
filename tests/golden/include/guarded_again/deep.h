#ifndef DEEP_H
#define DEEP_H
#if 1
#if 1
#endif
#endif
#endif
