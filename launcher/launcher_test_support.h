#pragma once
// Moved under testing/; kept here for the tests that still include it.
#include "launcher/testing/launcher_test_support.h"
