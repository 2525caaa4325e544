#ident "x"
#ident
x
