#error one
#error two
#error three
after;
