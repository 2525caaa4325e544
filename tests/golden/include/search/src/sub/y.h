sub_y;
