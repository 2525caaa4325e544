a
bcd
xy
