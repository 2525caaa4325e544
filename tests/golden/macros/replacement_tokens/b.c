/* Names are kept to their 31 significant units: these two are the same
   definition, and the macro of 31 units is what both name. */
#define abcdefghijklmnopqrstuvwxyzabcde 31
#define W (abcdefghijklmnopqrstuvwxyzabcde1 + 1)
#define W (abcdefghijklmnopqrstuvwxyzabcde2 + 1)
r = W;
