#include "text/text.h"

TypedChar makeTypedChar(unsigned char character) {
    return TypedChar{static_cast<char>(character), '\0'};
}
