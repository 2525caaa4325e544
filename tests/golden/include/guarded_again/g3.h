#if ! defined G3_H
#endif
