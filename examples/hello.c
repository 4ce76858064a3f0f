#include <stdio.h>

#include "greet.h"

int main(void)
{
    printf("%s\n", Greeting("world"));
    return 0;
}
