two_b;
