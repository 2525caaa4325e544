lower;
