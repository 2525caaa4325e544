a /* x /* y */ b
