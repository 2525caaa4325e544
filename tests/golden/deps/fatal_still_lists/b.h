b;
