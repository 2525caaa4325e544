int toc;
