#include "HostileSupport.h"

#include <gtest/gtest.h>
