// Libraries loaded by their Windows names.
#include <gtest/gtest.h>
