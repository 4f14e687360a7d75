// The utility object: the text codec, apostrophe doubling and the input-panel switch.
#pragma once

#include "db/text_codec.h"
