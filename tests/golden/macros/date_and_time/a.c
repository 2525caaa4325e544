__DATE__ __TIME__
__DATE__ __TIME__
