y;
