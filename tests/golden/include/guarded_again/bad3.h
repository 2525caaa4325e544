#ifndef BAD3_H
#define BAD3_H
#endif
after_bad3;
