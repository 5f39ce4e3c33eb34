"""The substitute screener site: data generator, pages and the HTTPS server."""
