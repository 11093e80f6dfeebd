// The value checks of the option sheet's pages.
#pragma once
