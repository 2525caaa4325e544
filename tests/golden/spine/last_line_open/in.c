a
  b   c  