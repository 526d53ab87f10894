// The shared library is made of the static layers linked whole; this unit only
// gives the target a source of its own.
