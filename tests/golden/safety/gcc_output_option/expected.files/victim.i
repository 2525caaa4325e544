int earlier;
