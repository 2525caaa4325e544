three_b;
