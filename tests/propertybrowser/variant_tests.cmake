# Tests of the variant classes of the property browser.
