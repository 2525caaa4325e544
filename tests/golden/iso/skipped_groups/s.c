#if 0
const char *s = "/*";
#endif
live1
/* c */
live2
#if 0
It's prose, and a lone " too /* not a comment
char c = '/*';
#else
live3
#endif
#ifdef NOTHING
  "/*"  # if 1
#define X "*/"
#elif 1
live4 // "*/"
#endif
#if 0
  don't
# error "/*" isn't an error here
#endif "/*"
live5
