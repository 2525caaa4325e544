z_in_inc4_sub;
