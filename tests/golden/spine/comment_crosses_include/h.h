x /* open
