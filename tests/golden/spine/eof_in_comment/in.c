a /* open
