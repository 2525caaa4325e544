#define S(x) #x
#define MSG(x) "value: " # x
S(a "b\n" c)
MSG(  spaced   out  )
