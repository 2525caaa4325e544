abs;
