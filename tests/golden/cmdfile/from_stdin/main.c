X; Y;
