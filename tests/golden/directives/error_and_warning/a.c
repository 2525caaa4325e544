#error bad   thing  
#warning careful
x
