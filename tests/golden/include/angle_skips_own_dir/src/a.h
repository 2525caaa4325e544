int from_src;
