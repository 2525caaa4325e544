z;
