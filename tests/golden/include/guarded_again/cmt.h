/* before the guard */
#ifndef CMT_H
#define CMT_H
#endif
// after the guard
