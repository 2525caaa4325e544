a




b





c
