a /* x */ b // y
c /* m
n */ d
