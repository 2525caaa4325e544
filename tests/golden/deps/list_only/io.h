io_h;
