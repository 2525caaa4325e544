space;
