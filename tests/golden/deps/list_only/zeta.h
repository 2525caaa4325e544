zeta;
