# The contents file cannot be made (a directory holds its name): the
# frame set and the main page are still written, headings without anchors.
mkdir toc_r.html
exec -a cpp "$CPP" --udf=r.html -U__DATE__ -U__TIME__ in.c out.i
