// A whole sale through the coupon operations, compared on the paper.
#include <gmock/gmock.h>

#include "coupon_fixture.h"

namespace coupon_test {
namespace {

}  // namespace
}  // namespace coupon_test
