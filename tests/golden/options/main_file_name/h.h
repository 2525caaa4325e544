h;
