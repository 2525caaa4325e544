# The program name is listed in the report: give it a fixed one.
exec -a cpp "$CPP" --udf=r.html -U__DATE__ -U__TIME__ -DDEBUG -DVER=2 in.c out.i
