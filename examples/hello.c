/* A small example: a guard, a constant, a function-like macro. */
#ifndef HELLO_H
#define HELLO_H
#define GREETING "hello, world"
#define SQUARE(x) ((x) * (x))
#endif

int main(void)
{
    int n = SQUARE(7);   /* 49 */
    puts(GREETING);
    return n - 49;
}
