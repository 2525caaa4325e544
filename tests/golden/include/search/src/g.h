#ifndef G_H
#define G_H
#define G 5
#endif
