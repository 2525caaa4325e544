c;
