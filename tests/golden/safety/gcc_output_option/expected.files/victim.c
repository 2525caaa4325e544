int victim;
