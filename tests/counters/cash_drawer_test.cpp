// The cash drawer.
