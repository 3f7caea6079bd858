// The data store's fixture databases, shared with the core tests.
#include "tests/Classes/core/Fixtures.cpp"
