a  b
