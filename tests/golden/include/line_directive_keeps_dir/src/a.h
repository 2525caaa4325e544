from_src;
