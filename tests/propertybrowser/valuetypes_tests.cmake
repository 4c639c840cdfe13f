# Tests of the valuetypes classes of the property browser.
