int from_inc;
