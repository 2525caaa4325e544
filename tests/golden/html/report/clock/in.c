__DATE__ __TIME__
