A; B; C;
