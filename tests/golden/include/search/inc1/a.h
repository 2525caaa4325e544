from_inc1_a;
