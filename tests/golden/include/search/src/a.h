from_src_a;
