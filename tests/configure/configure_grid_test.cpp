// The favorites grid: icons, pickers, rename, selection and action states.
#include "configure_fixture.h"

namespace {
using configuretest::ConfigureTest;
using configuretest::Dialog;
}  // namespace
