#include <stdio.h>

#include "greet.h"

const char* Greeting(const char* name)
{
    static char text[64];
    snprintf(text, sizeof text, "Hello, %s!", name);
    return text;
}
