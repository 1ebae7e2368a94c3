// The map view renderer.
