sub_x;
