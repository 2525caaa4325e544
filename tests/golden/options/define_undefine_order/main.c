[X] [Y] [Z] [W] [V] [F(x)]
