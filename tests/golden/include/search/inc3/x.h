x_in_inc3;
