int h; /* opened in the header,
   running past its end
