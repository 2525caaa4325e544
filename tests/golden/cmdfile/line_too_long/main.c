A;
