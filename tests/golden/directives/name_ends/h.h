in_h;
