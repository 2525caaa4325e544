#
x
#   
y
