#pragma once
#include "support/MediaClips.h"
