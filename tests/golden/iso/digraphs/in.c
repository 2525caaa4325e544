%:define R(a) %: %:a
R(x)
