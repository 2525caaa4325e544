three;
