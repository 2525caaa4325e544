two;
