#warning look here
int x;
  #foo
#if 1
#endif extra
