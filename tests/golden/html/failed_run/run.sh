# A run with an error leaves the report as far as it got: the macro table
# and the main page unclosed, the contents count not filled in.
exec -a cpp "$CPP" --udf=r.html -U__DATE__ -U__TIME__ -U__STDC__ -U__FILE__ in.c out.i
