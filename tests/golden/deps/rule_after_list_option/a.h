a;
