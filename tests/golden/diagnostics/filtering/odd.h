#odd
