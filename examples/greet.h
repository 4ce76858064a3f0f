#ifndef GREET_H
#define GREET_H

const char* Greeting(const char* name);

#endif
