// A module that only carries resources; the tests load it as a data file.
