# Tests of the appearance classes of the property browser.
